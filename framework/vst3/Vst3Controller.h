#pragma once
// The edit-controller family: parameters, units and program lists, and the
// host's component handler.
#include "framework/vst3/Vst3Processing.h"

namespace vst3 {

using UnitID = int32;
using ProgramListID = int32;
using KnobMode = int32;

enum ParameterFlags : int32 {
  kNoParameterFlags = 0,
  kCanAutomate = 1 << 0,
  kIsReadOnly = 1 << 1,
  kIsWrapAround = 1 << 2,
  kIsList = 1 << 3,
  kIsProgramChange = 1 << 15,
  kIsBypass = 1 << 16,
};

constexpr UnitID kRootUnitId = 0;
constexpr UnitID kNoParentUnitId = -1;
constexpr ProgramListID kNoProgramListId = -1;

struct ParameterInfo {
  ParamID id;
  String128 title;
  String128 shortTitle;
  String128 units;
  int32 stepCount;
  ParamValue defaultNormalizedValue;
  UnitID unitId;
  int32 flags;
};

struct UnitInfo {
  UnitID id;
  UnitID parentUnitId;
  String128 name;
  ProgramListID programListId;
};

struct ProgramListInfo {
  ProgramListID id;
  String128 name;
  int32 programCount;
};

class IPlugView;  // the editor view; this module offers none yet

class IComponentHandler : public FUnknown {
 public:
  virtual tresult TORVA_VST3_API beginEdit(ParamID id) = 0;
  virtual tresult TORVA_VST3_API performEdit(ParamID id, ParamValue valueNormalized) = 0;
  virtual tresult TORVA_VST3_API endEdit(ParamID id) = 0;
  virtual tresult TORVA_VST3_API restartComponent(int32 flags) = 0;
  static constexpr Uid iid = MakeUid(0x93A0BEA3, 0x0BD045DB, 0x8E890B0C, 0xC1E46AC6);
};

class IComponentHandler2 : public FUnknown {
 public:
  virtual tresult TORVA_VST3_API setDirty(TBool state) = 0;
  virtual tresult TORVA_VST3_API requestOpenEditor(FIDString name) = 0;
  virtual tresult TORVA_VST3_API startGroupEdit() = 0;
  virtual tresult TORVA_VST3_API finishGroupEdit() = 0;
  static constexpr Uid iid = MakeUid(0xF040B4B3, 0xA36045EC, 0xABCDC045, 0xB4D5A2CC);
};

// Slots 6 and 7 carry the controller's own state. They are separate
// functions from the component's setState/getState, so they get their own
// C++ names here (names are not part of the binary interface).
class IEditController : public IPluginBase {
 public:
  virtual tresult TORVA_VST3_API setComponentState(IBStream* state) = 0;
  virtual tresult TORVA_VST3_API setEditorState(IBStream* state) = 0;
  virtual tresult TORVA_VST3_API getEditorState(IBStream* state) = 0;
  virtual int32 TORVA_VST3_API getParameterCount() = 0;
  virtual tresult TORVA_VST3_API getParameterInfo(int32 paramIndex, ParameterInfo& info) = 0;
  virtual tresult TORVA_VST3_API getParamStringByValue(ParamID id, ParamValue valueNormalized,
                                                       String128 string) = 0;
  virtual tresult TORVA_VST3_API getParamValueByString(ParamID id, TChar* string,
                                                       ParamValue& valueNormalized) = 0;
  virtual ParamValue TORVA_VST3_API normalizedParamToPlain(ParamID id,
                                                           ParamValue valueNormalized) = 0;
  virtual ParamValue TORVA_VST3_API plainParamToNormalized(ParamID id, ParamValue plainValue) = 0;
  virtual ParamValue TORVA_VST3_API getParamNormalized(ParamID id) = 0;
  virtual tresult TORVA_VST3_API setParamNormalized(ParamID id, ParamValue value) = 0;
  virtual tresult TORVA_VST3_API setComponentHandler(IComponentHandler* handler) = 0;
  virtual IPlugView* TORVA_VST3_API createView(FIDString name) = 0;
  static constexpr Uid iid = MakeUid(0xDCD7BBE3, 0x7742448D, 0xA874AACC, 0x979C759E);
};

class IEditController2 : public FUnknown {
 public:
  virtual tresult TORVA_VST3_API setKnobMode(KnobMode mode) = 0;
  virtual tresult TORVA_VST3_API openHelp(TBool onlyCheck) = 0;
  virtual tresult TORVA_VST3_API openAboutBox(TBool onlyCheck) = 0;
  static constexpr Uid iid = MakeUid(0x7F4EFE59, 0xF3204967, 0xAC27A3AE, 0xAFB63038);
};

class IUnitInfo : public FUnknown {
 public:
  virtual int32 TORVA_VST3_API getUnitCount() = 0;
  virtual tresult TORVA_VST3_API getUnitInfo(int32 unitIndex, UnitInfo& info) = 0;
  virtual int32 TORVA_VST3_API getProgramListCount() = 0;
  virtual tresult TORVA_VST3_API getProgramListInfo(int32 listIndex, ProgramListInfo& info) = 0;
  virtual tresult TORVA_VST3_API getProgramName(ProgramListID listId, int32 programIndex,
                                                String128 name) = 0;
  virtual tresult TORVA_VST3_API getProgramInfo(ProgramListID listId, int32 programIndex,
                                                CString attributeId,
                                                String128 attributeValue) = 0;
  virtual tresult TORVA_VST3_API hasProgramPitchNames(ProgramListID listId,
                                                      int32 programIndex) = 0;
  virtual tresult TORVA_VST3_API getProgramPitchName(ProgramListID listId, int32 programIndex,
                                                     int16 midiPitch, String128 name) = 0;
  virtual UnitID TORVA_VST3_API getSelectedUnit() = 0;
  virtual tresult TORVA_VST3_API selectUnit(UnitID unitId) = 0;
  virtual tresult TORVA_VST3_API getUnitByBus(MediaType type, BusDirection dir, int32 busIndex,
                                              int32 channel, UnitID& unitId) = 0;
  virtual tresult TORVA_VST3_API setUnitProgramData(int32 listOrUnitId, int32 programIndex,
                                                    IBStream* data) = 0;
  static constexpr Uid iid = MakeUid(0x3D4BD6B5, 0x913A4FD2, 0xA886E768, 0xA5EB92C1);
};

// Declared for its id only: a combined component never offers it, so that no
// host connects the object to itself.
class IConnectionPoint : public FUnknown {
 public:
  static constexpr Uid iid = MakeUid(0x70A4156F, 0x6E6E4026, 0x989148BF, 0xAA60D8D1);
};

// ---- Layout checks (identical on both targets) ----
static_assert(sizeof(ParameterInfo) == 792 && alignof(ParameterInfo) == 8, "ParameterInfo");
static_assert(offsetof(ParameterInfo, title) == 4 && offsetof(ParameterInfo, shortTitle) == 260 &&
                  offsetof(ParameterInfo, units) == 516 &&
                  offsetof(ParameterInfo, stepCount) == 772 &&
                  offsetof(ParameterInfo, defaultNormalizedValue) == 776 &&
                  offsetof(ParameterInfo, unitId) == 784 && offsetof(ParameterInfo, flags) == 788,
              "ParameterInfo fields");
static_assert(sizeof(UnitInfo) == 268 && offsetof(UnitInfo, programListId) == 264, "UnitInfo");
static_assert(sizeof(ProgramListInfo) == 264 && offsetof(ProgramListInfo, programCount) == 260,
              "ProgramListInfo");

}  // namespace vst3
