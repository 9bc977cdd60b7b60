// The collation locale is read once per process; tests that change it have it read again.
#pragma once

// Makes the next name comparison read the locale from the environment again (defined with the
// comparison in platform/core).
void ResetCollationForTesting();
