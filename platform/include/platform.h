// The handheld platform's public interface: everything the program calls.
#pragma once

#include "platform/types.h"
#include "platform/kernel.h"
#include "platform/gdi.h"
#include "platform/user.h"
#include "platform/user_controls.h"
#include "platform/shell.h"
