// The table-file reader (PW_FUZZ_FILE 0) and the schedule-file reader (1).
#include "fuzz_input.h"
#include "store/schedule_file.h"
#include "store/table_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string content = pw::fuzz::Text(data, size);
#if PW_FUZZ_FILE == 0
    pw::ListTable table;
    table.path = pw::fuzz::WriteScratch("Set/Balance.set", content);
    table.columnNames = {"Currency", "Value", "UpdateDate"};
    pw::LoadColumnWidths(table);
#else
    pw::fuzz::WriteScratch("Set/LR_U1234567.sav", content);
    for (const int fields : {8, 9}) (void)pw::LoadSchedule(pw::fuzz::ScratchDir(), "LR_U1234567", fields, 4);
#endif
    return 0;
}
