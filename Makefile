# The two commands: `make run` and `make test`. Each installs what is missing first.
.PHONY: run test setup clean

setup:
	@scripts/bootstrap

run: setup
	@scripts/run

test: setup
	@scripts/test-all

clean:
	rm -rf build
