#include "report_list.h"
