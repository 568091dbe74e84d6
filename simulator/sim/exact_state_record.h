// The exact state record: written beside last_view.cfg, the object files and time.cfg when a live
// run saves its state, so that the next live run continues bit for bit instead of from the six
// digits those files hold. The files stay as they are; the record is used only while every one of
// them is still exactly as the save wrote it, and a missing, damaged or stale record is ignored.
#pragma once

#include <string>
#include <vector>

#include "sim_state.h"
#include "text_file.h"

// Data-directory-relative name of the record.
inline constexpr const char* kExactStateRecordName = "exact_state.rec";

// Removes the record, so that a save that fails half way cannot leave a record beside files it
// does not describe. Call before the state is saved.
void removeExactStateRecord(const SimState& state);

// Writes the record for the state just saved (configuration, digests of the saved files' texts,
// exact state), atomically. saved holds the files of that save as saveStateOnExit hands them
// back. False if they are not that save's files or the record could not be written; that is
// never an error.
bool writeExactStateRecord(const SimState& state, const std::vector<FileToWrite>& saved);

// Live start-up, after the scene fill: when the record belongs to the configuration, every file it
// names still has its digest and its values round to what was loaded, the state continues from
// the exact values and true is returned. Otherwise nothing changes; when a record exists but is
// not used, notUsedBecause (if given) says why (damaged, another configuration, files changed).
bool resumeFromExactStateRecord(SimState& state, std::string* notUsedBecause = nullptr);

// The record's text for state and the files its save wrote; empty if saved does not hold exactly
// the saved files in their order, or the state is not finite.
std::string formatExactStateRecord(const SimState& state, const std::vector<FileToWrite>& saved);
