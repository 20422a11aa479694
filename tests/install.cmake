# tests of the installer
