#include "program_services.h"
