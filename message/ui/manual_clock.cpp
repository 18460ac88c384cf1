#include "manual_clock.h"
