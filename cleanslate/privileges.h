// Turns on every privilege of the process token except the two kept ones,
// which stay as they were. Failures are silent.
#pragma once

void EnablePrivileges();
