// The crash reporter's version as reports and messages name it.
#pragma once

constexpr char kReporterVersion[] = "6.0.24";
