#pragma once
// The start-up upgrade that brings data files of older versions to the current columns. Each step
// is guarded by its data set failing to open with the columns it declares.

namespace gz {

class Database;

// Step 1 (before the splash): config.flashbj, set to true. Returns true when it ran.
bool upgradeConfig(Database& db);
// Step 2 (after login): employee.szbj, set to false.
bool upgradeEmployee(Database& db);
// Step 3 (after login): gzb.payoff (false) and employee.dj (0).
bool upgradePayroll(Database& db);
// All three in order, for tools that open the file without a login.
int upgradeAll(Database& db);

} // namespace gz
