#include "protocol/port.h"
