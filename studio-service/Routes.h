#ifndef ROUTES_H
#define ROUTES_H

class StudioService;

// Each group of service actions registers its handlers here.
void registerLoginRoutes(StudioService& service);

#endif
