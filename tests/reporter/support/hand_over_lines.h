// What reached the crash reporter, one line per exception on standard error, for tests that
// run a program and read what it reported:
//   Vessarion: handed over <class> at <address>, <handled|unhandled>, thread <id>,
//   <thrown|system>, to <module>: <message>
#pragma once

// Registers the global notification handlers that write the lines.
void ListenToHandOvers();
