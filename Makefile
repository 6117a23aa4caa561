# Shortcuts for the scripts the README names.
.PHONY: run test build installer bench bench-keys
run:
	./scripts/run.sh
test:
	./scripts/test.sh
build:
	./scripts/build.sh all
installer:
	./scripts/installer.sh
bench:
	./scripts/bench-scan.sh
bench-keys:
	./scripts/bench-keys.sh
