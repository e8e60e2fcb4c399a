#pragma once
// A comparison run works on a private copy of the two texts, so the document stays readable
// (painting, commands) while the worker matches, and a document that is cleared during a run
// is never touched by it. The result is merged back when the run completes.
#include "engine/document/text_document.h"

namespace kl {

// The two line tables (match fields left empty) and the file information texts the run
// reports; everything else stays empty.
TextDocument SnapshotForRun(const TextDocument& doc);

// Moves the result of a run on snapshot into target: the match fields of every line, the
// rows and the block lists. False, and target unchanged, when target no longer holds texts
// of the snapshot's shape (a text was released or replaced meanwhile).
bool MergeRunResult(TextDocument& target, TextDocument& snapshot);

}  // namespace kl
