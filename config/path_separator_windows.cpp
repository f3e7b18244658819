#include "config/path_separator.h"

const char PATH_SEPARATOR = '\\';
