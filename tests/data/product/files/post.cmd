#!/bin/sh
# Run by the host platform as the after-installation command: leaves its command line behind.
printf '%s\n' "$SETUP_HOST_COMMAND_LINE" >> "$SETUP_HOST_SANDBOX/C/commands-ran.txt"
