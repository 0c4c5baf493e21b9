// Deskplan from start to end; answers the process exit code.
#pragma once

int RunDeskplan();
