// Resource identifiers shared by tessel.rc and the code.
#pragma once

#define IDI_TESSEL 1
