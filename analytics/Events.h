// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Event names as the analytics project knows them. Property keys are lower snake case.
namespace Analytics::Event {

inline constexpr auto appInstalled = "App Installed";
inline constexpr auto appLaunched = "App Launched";
inline constexpr auto analyticsOptOutChanged = "Analytics Opt Out Changed";
inline constexpr auto dailySummary = "Daily Summary";
inline constexpr auto appQuit = "App Quit";
inline constexpr auto appQuitCancelled = "App Quit Cancelled";
inline constexpr auto loginItemRegistered = "Login Item Registered";
inline constexpr auto workStatusChanged = "Work Status Changed";
inline constexpr auto manualRefresh = "Manual Refresh";
inline constexpr auto menuOpened = "Menu Opened";
inline constexpr auto settingsOpened = "Settings Opened";
inline constexpr auto panelOpened = "Panel Opened";
inline constexpr auto panelClosed = "Panel Closed";
inline constexpr auto panelPinToggled = "Panel Pin Toggled";
inline constexpr auto automationPermissionResult = "Automation Permission Result";
inline constexpr auto wolluSession = "Wollu Session";
inline constexpr auto dinnerStarted = "Dinner Started";
inline constexpr auto dinnerEnded = "Dinner Ended";
inline constexpr auto wolluVisibilityToggled = "Wollu Visibility Toggled";
// From the panel's leave button and from the end-of-day prompt (told apart by "source").
inline constexpr auto eodChoiceMade = "EOD Choice Made";
inline constexpr auto eodPromptShown = "EOD Prompt Shown";
inline constexpr auto settingsSaved = "Settings Saved";
inline constexpr auto settingsSaveRejected = "Settings Save Rejected";
inline constexpr auto settingsCancelled = "Settings Cancelled";
inline constexpr auto wolluTrackingToggled = "Wollu Tracking Toggled";
inline constexpr auto distractionListToggled = "Distraction List Toggled";
inline constexpr auto distractionAdded = "Distraction Added";
inline constexpr auto distractionRemoved = "Distraction Removed";
inline constexpr auto distractionAddCancelled = "Distraction Add Cancelled";

} // namespace Analytics::Event
