// "/EXPORT": every stored layout, with the version marker, written to a file
// in the user's documents folder that the registry editor imports.
#pragma once

// False only when the file could not be created or written completely, or the
// stored layouts could not be read whole; no file is then left, and the
// program ends with exit code 1. No product key means nothing to do.
bool ExportRegistryFile();
