// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The end-of-day prompt on its own: shows it, prints "선택: 퇴근" or "선택: 야근" once answered and
// puts the stored end-of-day values back exactly as they were (removing them when there were
// none). Returns the exit status.
int runEodPreview();
