// What differs between the file systems the store runs on; the build links the one it runs on.
#pragma once

// Between the save folder and the file name.
extern const char PATH_SEPARATOR;
