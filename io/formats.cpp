#include "io/formats.h"
