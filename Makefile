# The entry points; see README.md.
.PHONY: run run-windows run-web web test bench fuzz dist deps

deps:
	@tools/install_deps.sh

run: deps
	@tools/run.sh

run-windows: deps
	@tools/run_windows.sh

# The page in build/web/, and the same served on 127.0.0.1 to play in a browser.
web: deps
	@tools/web.sh

run-web: deps
	@tools/run_web.sh

test: deps
	@tools/test.sh

bench: deps
	@tools/bench.sh

# Ten million executions of every fuzz target at the lowest priority; see docs/robustness.md.
fuzz: deps
	@tools/fuzz/run.sh long

dist: deps
	@tools/dist.sh
