#pragma once
// The sound that goes with a red error text.
namespace qtshared {

// Plays the system's exclamation sound and returns at once (Windows: the sound alias
// "SystemExclamation"; elsewhere the toolkit's bell).
void PlayExclamation();

}  // namespace qtshared
