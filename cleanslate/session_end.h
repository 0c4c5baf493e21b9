// Logs the user off once the reset is done; the answer is not examined.
#pragma once

void EndSession();
