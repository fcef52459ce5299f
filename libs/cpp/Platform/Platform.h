#pragma once

// The desktop integration layer in one include.
#include "Autostart.h"
#include "FileManager.h"
#include "ScreenGrab.h"
#include "SessionWatcher.h"
#include "SystemInfo.h"
#include "UrlOpener.h"
#include "WebHosts.h"
