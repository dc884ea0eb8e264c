#include "common/rigwiseapp.h"

wxIMPLEMENT_APP(RigwiseApp);
