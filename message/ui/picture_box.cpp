#include "picture_box.h"
