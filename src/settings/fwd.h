#pragma once

// Declarations of the settings' types, for headers that only hold references
// to them. InstalledPrinters is an alias: include settings/installed_printers.h.
namespace vantorel::settings {
struct Settings;
struct ServiceSettings;
struct RoutingSettings;
struct CompositionSettings;
struct ArchiveSettings;
struct ConsoleSettings;
struct HeaderSettings;
struct KeyName;
class SettingsStore;
class PrintCount;
class PrintCountStore;
}  // namespace vantorel::settings
