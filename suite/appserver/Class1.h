#pragma once
// Tallyd.Class1: the application server object of the line-clearance voucher report. One
// object per client (per socket connection, or one created in the module's process): it
// keeps the context of Connect, the providers' data requests, the scheme list key of
// LoadTable and the format lock of RunUpdFlagSQL.
#include <map>
#include <memory>
#include <string>

#include "platform/com/Dispatch.h"
#include "suite/appserver/Database.h"
#include "suite/appserver/ServerConfig.h"
#include "suite/appserver/Trace.h"

namespace nv::tallyd {

constexpr const char* kServerProgID = "Tallyd.Class1";

// A new server object (no reference held yet). trace may be null (tracing off).
IDispatchObject* CreateTallydClass1(const TServerConfig& config,
                                    std::shared_ptr<TStatementTrace> trace);
// The same, with the configuration in effect for this process (DefaultServerConfig) and its
// trace when the configuration switches it on.
IDispatchObject* CreateTallydClass1();
// Registers CreateTallydClass1() under "Tallyd.Class1" in this library's class registry, for a
// program that links the server in (the module itself reaches it through the plug-in).
void RegisterTallydClass1();

}  // namespace nv::tallyd
