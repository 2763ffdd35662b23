# The two commands: `make run` and `make test`. Each installs what is missing first.
# `make dist` builds the Windows release into dist/ (zip, installer, SHA256SUMS).
.PHONY: run test dist setup clean

setup:
	@scripts/bootstrap

run: setup
	@scripts/run

test: setup
	@scripts/test-all

dist: setup
	@scripts/dist

clean:
	rm -rf build
