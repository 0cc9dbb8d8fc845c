#pragma once
// Emptying the error log ("清空错误记录").

namespace gz {

class Database;
class ProgramFolder;

// Deletes the log file pkvgzgl.txt of the program folder when it exists and every apperror row.
// Returns the number of rows deleted.
int clearErrorLog(Database& db, const ProgramFolder& folder);

} // namespace gz
