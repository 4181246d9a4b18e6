// A thrown value that is not an Exception, as an Exception with its text, so that every
// handler and report has a class and a message to show.
#pragma once
#include "runtime/exception.h"

// Call only inside a handler of the foreign value: "what()" of a standard exception, else
// "Exception of class <name>".
Exception ForeignException();
