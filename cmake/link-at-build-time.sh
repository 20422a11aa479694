#!/bin/sh
# link-at-build-time.sh TIME_FILE LINKER ARGS...: runs the linker with the
# build time held in TIME_FILE as SOURCE_DATE_EPOCH (cmake/BuildTime.cmake).
SOURCE_DATE_EPOCH=$(cat "$1") || exit 1
export SOURCE_DATE_EPOCH
shift
exec "$@"
