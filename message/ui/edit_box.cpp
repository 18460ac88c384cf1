#include "edit_box.h"
