# The two entry points; see README.md.
.PHONY: run test deps dist

deps:
	@tools/install_deps.sh

run: deps
	@tools/run.sh

test: deps
	@tools/test.sh

dist: deps
	@tools/dist.sh
