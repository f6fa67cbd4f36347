#ifndef QTCHINESETEXTS_H
#define QTCHINESETEXTS_H

// Qt's own texts (standard buttons of boxes, file dialogs) and its calendars
// in Chinese whatever the machine's locale is, as on the studios' Chinese
// systems. Both programs call it once, right after their application object
// exists; texts the programs set themselves stay as they are.
//
//     QApplication app(argc, argv);
//     QtChineseTexts::install();
class QtChineseTexts
{
public:
    // False when Qt's Chinese translation is not installed; the Chinese
    // locale is used all the same.
    static bool install();
};

#endif
