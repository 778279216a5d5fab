// The program-group proposals of the wizard's group page.
#pragma once

// Fills ComboBox1 with the script's group name, then that name inside every existing folder of
// the Programs menu, and selects the first.
void FillProgramGroupList();
