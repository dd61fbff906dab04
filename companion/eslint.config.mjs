import { generateEslintConfig } from '@companion-module/tools/eslint/config.mjs'

const base = await generateEslintConfig({ ignores: ['pkg/**'] })

export default [
	...base,
	{
		// The tests run on the build machine's Node.js and its test runner, not on the hub's.
		files: ['test/**/*.js'],
		rules: { 'n/no-unsupported-features/node-builtins': 'off' },
	},
]
