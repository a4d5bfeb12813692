#pragma once

#include <QString>

// The reports of a generated register of `certificates` certificates: the list of every certificate
// and the mirror of every certificate, laid out and painted page by page as the preview does, timed
// against reading the same rows with their bare query in the same run. Prints the times and their
// ratios. Needs a GUI application (fonts). Returns false when a report could not be made.
bool benchReports(int certificates, const QString& sampleReferenceSql);
