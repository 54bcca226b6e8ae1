#pragma once

namespace quorvel {

// The window's process keeps the megabytes it frees for its next calculation. The working of a
// long line goes through the box's document as a few buffers of megabytes each; by default
// glibc maps every such buffer afresh and unmaps it when freed, so each Enter paid again for
// zeroed pages (about a third of the time to the shown result). At most 16 MB stay unused.
void KeepFreedBuffersForReuse();

}  // namespace quorvel
