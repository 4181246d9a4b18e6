// 5 MB of address space kept free while no exception is processed, and given back while one
// is, so that an out-of-memory report still finds room for its work.
#pragma once

void ReserveMemoryForReports();
void ReleaseMemoryForReports();
