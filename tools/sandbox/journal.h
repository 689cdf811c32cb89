#pragma once
// The transfers booked since the demo state. They are kept in the state folder
// ("journal.txt", one transfer a line) and booked again when the simulator starts, so that
// balances and histories outlive a restart; removing the file goes back to the demo state.
#include <string>
#include <vector>

namespace sandbox {

// Reads the journal of the folder (before the services are made). Without a call nothing is
// kept. False when an existing journal cannot be read.
bool OpenJournal(const std::string& dir);
// The transfers of one system ("LR", "PM", "VM", "EG") in booking order, each as the fields
// its service recorded.
std::vector<std::vector<std::string>> JournalEntries(const std::string& system);
// Appends a booked transfer of the system (written through at once).
void JournalBooked(const std::string& system, const std::vector<std::string>& fields);
// The journal's path in a state folder.
std::string JournalPath(const std::string& dir);

}  // namespace sandbox
