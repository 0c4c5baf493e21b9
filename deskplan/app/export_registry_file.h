// "/EXPORT": every stored layout, with the version marker, written to a file
// in the user's documents folder that the registry editor imports.
#pragma once

enum ExportOutcome {
  kExportComplete,    // the file holds every stored layout value (or there was nothing to export)
  kExportIncomplete,  // the file is in place, but values or layouts that
                      // could not be read or written in a line are left out
  kExportFailed,      // no new file: an earlier export of the day stays as it was
};

// Writes the export beside its target and puts it in place once whole. A
// complete export confirms unless quiet; an incomplete one says, unless
// quiet, how much was left out; a failed one shows nothing.
ExportOutcome ExportRegistryFile();
