// The renamer's version, in the one place both the resources and the code read it from.
#pragma once

#define KORVAL_VERSION_NUMBERS 4, 2, 3, 1201
#define KORVAL_VERSION_TEXT "4.2.3.1201"
#define KORVAL_VERSION_WIDE L"4.2.3.1201"
