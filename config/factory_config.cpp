#include "config/factory_config.h"

FactoryConfig g_sFactoryConfig = CONFIG_AT_START;
