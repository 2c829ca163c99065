// A stand-in for the spreadsheet application's automation server, for
// tests: the members the Excel engine calls (by name or dispatch
// identifier), answered from workbook files read with the file engine.
// Register() makes it reachable under the application's class identifier,
// as a running instance and/or through a class factory.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct TStandInLog {
  std::vector<std::wstring> calls;   // member names in call order
  std::vector<std::wstring> value2;  // the range of each Value2 read: "B2" or "A1:AT3"
  size_t fail_value2_at = 0;         // when not 0, that Value2 read (from 1) fails
  LCID lcid = 0;                     // the locale of the last call
  UINT open_args = 0;                // argument count of Workbooks.Open
  bool display_alerts = true;
  bool screen_updating = false;
  int active_sheet = 0;
  int factory_creations = 0;
};

class TExcelStandIn {
 public:
  TExcelStandIn();
  ~TExcelStandIn();
  TExcelStandIn(const TExcelStandIn&) = delete;
  TExcelStandIn& operator=(const TExcelStandIn&) = delete;

  // running: RegisterActiveObject; factory: CoRegisterClassObject.
  void Register(bool running, bool factory);
  void Revoke();
  TStandInLog& Log();

 private:
  struct TImpl;
  TImpl* impl_;
};
