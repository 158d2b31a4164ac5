# The two entry points; see README.md.
.PHONY: run test deps fuzz

deps:
	@tools/install_deps.sh

run: deps
	@tools/run.sh

test: deps
	@tools/test.sh

# Ten million executions of every fuzz target at the lowest priority; see docs/fuzzing.md.
fuzz: deps
	@tools/fuzz/run.sh long
