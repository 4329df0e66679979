#pragma once

struct Status;

// The application's calls into analytics, in one place until the analytics subsystem is wired in.
namespace AnalyticsPlugIn {

void setDemoRun(bool demo);
bool demoRun();
void start();
void updateDailySnapshot(const Status& status);

} // namespace AnalyticsPlugIn
