#pragma once

// The one way a chart reaches a file or standard output, for the tank window and the command
// line alike.

#include <QString>
#include <functional>

#include "model/expected.h"
#include "tank/chartstream.h"
#include "tank/tankchart.h"

class QIODevice;

namespace brimwell {

// Writes the contents; false when a write failed.
using ContentWriter = std::function<bool(QIODevice&)>;

// A failure carries the system's reason ("No space left on device").
using SaveResult = Expected<void, QString>;

// Runs `write` on a new temporary file beside the path and renames it over the path only once
// every byte is on the disk, so a failed save never leaves a half-written file where a good one
// was and never leaves its temporary file behind. A symbolic link stays a link and its target
// gets the contents; an existing file keeps its permission bits, and its owner and group where
// the user may set them (root), and one its user may not write is refused. A writable file in a
// folder that cannot take the temporary file is written in place: a failure part-way then leaves
// it short, and is reported all the same. A path that names a device or a pipe is written
// directly: renaming over it would replace it.
SaveResult saveFile(const QString& path, const ContentWriter& write);

// Runs `write` on standard output, in binary.
SaveResult writeStandardOutput(const ContentWriter& write);

// Writes every block that `stream` hands to its sink, as it comes; false once a write failed,
// which also stops the stream.
ContentWriter blockWriter(std::function<bool(const ChartSink&)> stream);

// The chart with CR LF line ends, written block by block as it is built.
ContentWriter tankChartWriter(const TankChartParams& params, FailureReporter& reporter);

}  // namespace brimwell
