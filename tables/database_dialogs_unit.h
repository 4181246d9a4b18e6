// The table layer's dialogs as a unit: from initialisation to finalisation the session asks
// for passwords with the password dialog and database connections log in with the login
// dialog.
#pragma once
#include "runtime/units.h"

extern const TUnit DatabaseDialogsUnit;
