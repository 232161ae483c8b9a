#pragma once

#include "platform/file_lock.h"
#include "settings/save_result.h"

#include <memory>

namespace tintavo {

// How long a save waits for another running copy to finish its own.
inline constexpr int kLockWaitMs = 6000;

// Takes the lock that makes the saves of running copies into the file at
// path follow each other: beside the file, or where its folder takes no new
// files, in recoveryDir(); waits up to waitMs while another copy holds it.
// Null, with the reason in failure, when it cannot be had. It blocks: the
// window's thread leaves this to the save queue.
std::unique_ptr<FileLock> lockForSaving(const QString &path, SaveResult &failure,
                                        int waitMs = kLockWaitMs);

} // namespace tintavo
