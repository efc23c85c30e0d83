#ifndef QV_RES_RESOURCE_H
#define QV_RES_RESOURCE_H

/* Shared by the resource script and the C++ code, so only plain #defines. */

#define IDB_OPENFOLDER 128
#define QV_ICON_NAME   "QVIcon"

#endif
