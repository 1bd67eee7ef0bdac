#pragma once

// Installs the filter dialogs as the picture store's filter host (once, at start-up).
void InstallPictureFilterHost();
