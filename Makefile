# The two entry points; see README.md.
.PHONY: run test bench deps

deps:
	@tools/install_deps.sh

run: deps
	@tools/run.sh

test: deps
	@tools/test.sh

bench: deps
	@tools/bench.sh
