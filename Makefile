# Shortcuts for the scripts the README names.
.PHONY: run test build bench
run:
	./scripts/run.sh
test:
	./scripts/test.sh
build:
	./scripts/build.sh all
bench:
	./scripts/bench-scan.sh
