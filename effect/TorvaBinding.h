#pragma once
// TORVA derives from exactly one binding class, chosen by the module being
// built. Every binding has the same constructor shape: its HostArgument, then
// the identity and shape arguments of IFxBase (without the format code), and
// declares CreatePluginInstance, which the effect defines.
#if defined(TORVA_BINDING_VST2)
#include "framework/vst2/IFxVST.h"
using TorvaBinding = IFxVST;
#elif defined(TORVA_BINDING_VST3)
#include "framework/vst3/IFxVST3.h"
using TorvaBinding = IFxVST3;
#else
#include "framework/offline/IFxOffline.h"
using TorvaBinding = IFxOffline;
#endif
