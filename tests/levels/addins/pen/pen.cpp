#include "addins/sdk/velmo_addin.h"
#include "app/document/picture.h"
