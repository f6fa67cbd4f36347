#ifndef ROUTES_H
#define ROUTES_H

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <functional>

class StudioService;

// Each group of service actions registers its handlers here.
void registerLoginRoutes(StudioService& service);
void registerUpdateRoutes(StudioService& service);
void registerOrderRoutes(StudioService& service);
void registerWebLoginRoutes(StudioService& service);
void registerReportRoutes(StudioService& service);
void registerDispatchRoutes(StudioService& service);
void registerDeletionRoutes(StudioService& service);
void registerSingleImportRoutes(StudioService& service);
void registerLyraRoutes(StudioService& service);

struct RecordedRequest;
struct Response;
// The dispatch window's dialect of "order/order_list" ("type", no "searchtype").
bool isDispatchOrderList(const RecordedRequest& request);
Response dispatchOrderList(StudioService& service, const RecordedRequest& request);

// Applies `change` to the demo order with the id; false when there is none.
bool updateOrder(StudioService& service, const QString& id, const std::function<void(QJsonObject&)>& change);
void registerSeparationRoutes(StudioService& service);
// The JPEG that "getbarcodegen" answers for a demo order.
QByteArray demoBarCode(const QString& orderPhotoId);

// Address of a file of the demo folder's "downloads" on the running service,
// as an update announcement gives it in "path".
QString downloadUrl(const StudioService& service, const QString& fileName);

#endif
