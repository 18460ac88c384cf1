#include "label.h"
