#pragma once

#include <QIcon>

#include "platform/volumes.h"

namespace calvora::drives {

// Icons of our own for systems without an icon theme: a stick, a disk, a share, a disc and a
// memory chip, drawn at 16 and 32 pixels.
QIcon builtinDriveIcon(platform::DriveTypeCode type);

}  // namespace calvora::drives
