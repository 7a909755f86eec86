#pragma once
// Postlark's version, shared by the caption and the executable's version record.
#define POSTLARK_VERSION_MAJOR 1
#define POSTLARK_VERSION_MINOR 2
#define POSTLARK_VERSION_REVISION 0
#define POSTLARK_VERSION_TEXT "1.02"
