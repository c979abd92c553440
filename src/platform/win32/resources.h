// Resource ids shared by quorvant.rc and the code.
#pragma once

#define IDI_QUORVANT 1
