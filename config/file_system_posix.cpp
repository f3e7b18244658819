#include "config/file_system.h"

const char PATH_SEPARATOR = '/';
