#pragma once

// Between the save folder and the file name; the build picks the file system's own.
extern const char PATH_SEPARATOR;
