#include "import/ImportModeTexts.h"

ImportModeTexts ImportModeTexts::of(int mode)
{
    switch (mode) {
    case 0:
        return {QStringLiteral("导入照片(加载中)"), QStringLiteral("导入照片(原片)"), QStringLiteral("照片"),
                QStringLiteral("thumbnail"), QStringLiteral("订单已导入照片"), QStringLiteral("照片附加名"),
                QStringLiteral("订单已导入照片（")};
    case 1:
        return {QStringLiteral("导入成品(加载中)"), QStringLiteral("导入照片(成品)"), QStringLiteral("成品"),
                QStringLiteral("成品缩略图"), QStringLiteral("订单已导入成品"), QStringLiteral("订单附加名"),
                QStringLiteral("订单已导入成品（")};
    default:
        return {QStringLiteral("导入设计(加载中)"), QStringLiteral("导入照片(设计)"), QStringLiteral("设计"),
                QStringLiteral("设计缩略图"), QStringLiteral("订单已导入设计"), QStringLiteral("订单附加名"),
                QStringLiteral("订单已导入设计（")};
    }
}
