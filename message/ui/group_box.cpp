#include "group_box.h"
