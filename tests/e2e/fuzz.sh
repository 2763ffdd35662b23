#!/usr/bin/env bash
# Part of make test: a bounded fuzzing run of the command-line and display-mode parsers.
exec "$(dirname "$0")/../fuzz/run.sh"
