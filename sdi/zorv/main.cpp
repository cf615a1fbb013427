// The ZORV editor program.
#include "sdi/zorv/zorv_app.h"

wxIMPLEMENT_APP(CZorvApp);
