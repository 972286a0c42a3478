# A run whose expectation fails must end with a failure status.
store failing-store
expect status "never set"
echo "not reached"
