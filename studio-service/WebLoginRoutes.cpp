#include "Routes.h"
#include "StudioService.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

const char* const kLoginPagePath = "/user/public/yingwu_weixin_loginform/";

Response page(const QString& title, const QString& content = QString())
{
    const QString html = QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>%1</title></head>"
                                        "<body>%2</body></html>")
                             .arg(title.toHtmlEscaped(), content);
    return Response::raw(html.toUtf8(), "text/html; charset=utf-8");
}

QString resultTitle(const QJsonObject& result)
{
    return QString::fromUtf8(QJsonDocument(result).toJson(QJsonDocument::Compact));
}

} // namespace

// The web login page: a form that posts back to itself, answered by a page
// whose title is the login result as JSON.
void registerWebLoginRoutes(StudioService& service)
{
    const QString path = QString::fromLatin1(kLoginPagePath);
    service.setHandler(QStringLiteral("GET ") + path, [path](const RecordedRequest&) {
        return page(QStringLiteral("影务通登录"),
                    QStringLiteral("<form method=\"post\" action=\"%1\">"
                                   "<input name=\"username\" placeholder=\"用户名\">"
                                   "<input name=\"password\" type=\"password\" placeholder=\"密码\">"
                                   "<button type=\"submit\">登录</button></form>")
                        .arg(path));
    });

    service.setHandler(QStringLiteral("POST ") + path, [&service](const RecordedRequest& request) {
        const QJsonArray users = service.demo().value(QStringLiteral("users")).toArray();
        for (const QJsonValue& value : users) {
            const QJsonObject user = value.toObject();
            if (user.value(QStringLiteral("username")).toString() == request.value(QStringLiteral("username"))
                && user.value(QStringLiteral("password")).toString() == request.value(QStringLiteral("password"))) {
                return page(resultTitle({{QStringLiteral("code"), QStringLiteral("1")},
                                         {QStringLiteral("USERNAME"), user.value(QStringLiteral("USERNAME"))},
                                         {QStringLiteral("uid"), user.value(QStringLiteral("UID"))},
                                         {QStringLiteral("shop_data"), user.value(QStringLiteral("shop_data"))}}));
            }
        }
        return page(resultTitle({{QStringLiteral("code"), QStringLiteral("0")},
                                 {QStringLiteral("message"), QStringLiteral("用户名或密码错误")}}));
    });
}
