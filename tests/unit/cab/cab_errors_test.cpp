// The reader's error texts and the open-flag mapping of its file callbacks.
#include <gtest/gtest.h>

#include "cab/cab_file_callbacks.h"
#include "cab/cab_st_comps.h"
#include "cab/cab_st_consts.h"
#include "platform/file_system.h"

namespace {

TEST(ESTCabinet, MessageCarriesTheFdiTextAndCode) {
  struct Case {
    ERF error;
    std::string message;
  } cases[] = {
      {{0, 0, 1}, "No error [0x0000]"},
      {{1, 0, 1}, "Cabinet not found [0x0001]"},
      {{2, 0, 1}, "Cabinet file does not have the correct format [0x0002]"},
      {{3, 0, 1}, "Cabinet file has an unknown version number [0x0003]"},
      {{4, 0, 1}, "Cabinet file is corrupt [0x0004]"},
      {{5, 0, 1}, "Could not allocate enough memory [0x0005]"},
      {{6, 0, 1}, "Unknown compression type in a cabinet folder [0x0006]"},
      {{7, 0, 1}, "Failure decompressing data from a cabinet file [0x0007]"},
      {{8, 0, 1}, "Failure writing to target file [0x0008]"},
      {{9, 0, 1}, "Cabinets in a set do not have the same RESERVE sizes [0x0009]"},
      {{10, 0, 1}, "Cabinet returned on fdintNEXT_CABINET is incorrect [0x000A]"},
      {{11, 0, 1}, "FDI aborted [0x000B]"},
      {{12, 0, 1}, "FDI error [0x000C]"},
      {{0x12345, 0, 1}, "FDI error [0x12345]"},
      {{4, 5, 0}, "FDI error"},
      {{8, 5, 1},
       "Failure writing to target file [0x0008].\r\n" +
           std::string(platform::SystemErrorText(5)) + " [0x0005]."},
  };
  for (const Case& c : cases) {
    ESTCabinet error(c.error);
    EXPECT_EQ(error.what(), c.message);
    EXPECT_EQ(error.ErrorCode, c.error.erfOper);
    EXPECT_EQ(error.OsError, c.error.erfType);
    EXPECT_EQ(error.HasError, c.error.fError != 0);
  }
}

TEST(OpenRequestFromFlags, MapsTheRuntimeFlags) {
  using platform::FileAccess;
  using platform::FileCreation;
  struct Case {
    int flags;
    FileAccess access;
    FileCreation creation;
    bool temporary, random, sequential, deleteOnClose, append;
  } cases[] = {
      {0x8000, FileAccess::Read, FileCreation::OpenExisting, false, false, false, false, false},
      {0x8121, FileAccess::Write, FileCreation::OpenAlways, false, false, true, false, false},
      {0x0002, FileAccess::ReadWrite, FileCreation::OpenExisting, false, false, false, false, false},
      {0x0003, FileAccess::ReadWrite, FileCreation::OpenExisting, false, false, false, false, false},
      {0x0501, FileAccess::Write, FileCreation::CreateNew, false, false, false, false, false},
      {0x0400, FileAccess::Read, FileCreation::OpenExisting, false, false, false, false, false},
      {0x0301, FileAccess::Write, FileCreation::CreateAlways, false, false, false, false, false},
      {0x0201, FileAccess::Write, FileCreation::TruncateExisting, false, false, false, false, false},
      {0x1000, FileAccess::Read, FileCreation::OpenExisting, false, false, false, false, false},
      {0x1102, FileAccess::ReadWrite, FileCreation::OpenAlways, true, false, false, false, false},
      {0x0050, FileAccess::Read, FileCreation::OpenExisting, false, true, false, false, false},
      {0x0142, FileAccess::ReadWrite, FileCreation::OpenAlways, false, false, false, true, false},
      {0x0009, FileAccess::Write, FileCreation::OpenExisting, false, false, false, false, true},
  };
  for (const Case& c : cases) {
    OpenRequest request = OpenRequestFromFlags(c.flags);
    SCOPED_TRACE(c.flags);
    EXPECT_EQ(request.access, c.access);
    EXPECT_EQ(request.creation, c.creation);
    EXPECT_EQ(request.hints.temporary, c.temporary);
    EXPECT_EQ(request.hints.randomAccess, c.random);
    EXPECT_EQ(request.hints.sequential, c.sequential);
    EXPECT_EQ(request.hints.deleteOnClose, c.deleteOnClose);
    EXPECT_EQ(request.append, c.append);
    // Only a reader lets a writer keep the file open (the file phase's temporary cabinet).
    EXPECT_EQ(request.hints.othersMayWrite, c.access == FileAccess::Read);
  }
}

}  // namespace
