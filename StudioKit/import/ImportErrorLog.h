#ifndef IMPORTERRORLOG_H
#define IMPORTERRORLOG_H

#include <QString>

// The import error log: "logs/import_error.log" in the program's folder, or
// in the user's own data folder when the program's folder cannot take it.
namespace ImportErrorLog {

// Appends "yyyy-MM-dd hh:mm:ss | order | message" ("-" without an order). A
// log past 512 KiB is moved to "import_error.log.bak" first.
void write(const QString& order, const QString& message);

// The message for an import worker's error code: 1 and 2 name the server
// and backup roots that could not be made; any other code is shown as is.
QString imageErrorMessage(int errorCode);

// Puts the log into `folder` instead of the program's "logs" folder; an empty
// folder restores the default.
void setFolder(const QString& folder);

} // namespace ImportErrorLog

#endif
