// A file of the widgets layer that reaches up into the main window. The
// build must refuse it: the layers test compiles it and expects the include
// not to be found.

#include "app/main_window.h"
#include "widgets/list_box.h"
