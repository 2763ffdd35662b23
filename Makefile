# The two commands: `make run` and `make test`. Each installs what is missing first.
# `make dist` builds the Windows release into dist/ (zip, installer, SHA256SUMS), then the Debian
# package (`make deb`: dist/torvex_<version>_amd64.deb).
.PHONY: run test dist deb setup clean

setup:
	@scripts/bootstrap

run: setup
	@scripts/run

test: setup
	@scripts/test-all

dist: setup
	@scripts/dist
	@scripts/deb

deb: setup
	@scripts/deb

clean:
	rm -rf build
