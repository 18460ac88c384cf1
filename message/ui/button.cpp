#include "button.h"
