# The entry points; see README.md.
.PHONY: run run-windows test bench fuzz dist deps

deps:
	@tools/install_deps.sh

run: deps
	@tools/run.sh

run-windows: deps
	@tools/run_windows.sh

test: deps
	@tools/test.sh

bench: deps
	@tools/bench.sh

# Ten million executions of every fuzz target at the lowest priority; see docs/robustness.md.
fuzz: deps
	@tools/fuzz/run.sh long

dist: deps
	@tools/dist.sh
