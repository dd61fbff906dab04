'use strict'

const { Layout, numbers } = require('./layout')

// The option fields that name a numbered control or a hard key, shared by actions and feedbacks.
function numberChoice(id, label, count) {
	return {
		type: 'dropdown',
		id,
		label,
		default: 1,
		choices: numbers(count).map((n) => ({ id: n, label: String(n) })),
	}
}

function keyChoice(id, defaultKey) {
	return {
		type: 'dropdown',
		id,
		label: 'Key',
		default: defaultKey,
		choices: Layout.hardKeys.map((label) => ({ id: label, label })),
	}
}

module.exports = { numberChoice, keyChoice }
