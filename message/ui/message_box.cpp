#include "message_box.h"
