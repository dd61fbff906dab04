'use strict'

const { Layout } = require('./layout')
const { numberChoice, keyChoice } = require('./choices')
const { quoted, parameterWord } = require('./words')

// What the hub's log says of an action the panel refused, at once or when its turn came.
const refusalText = (reason) => `The panel refused: ${reason}`

// Every action is one of the panel's named commands; a refusal is logged with the panel's reason.
function actionDefinitions({ client, log }) {
	const run = async (sending) => {
		try {
			const answer = await sending
			if (!answer.ok) log('warn', refusalText(answer.text))
			return answer
		} catch (error) {
			log('warn', error.message)
			return { ok: false, text: error.message }
		}
	}
	const command = (line) => run(client.command(line))
	const text = async (action, context, id) => {
		const value = String(action.options[id] ?? '')
		return context?.parseVariablesInString ? context.parseVariablesInString(value) : value
	}

	return {
		select_unit: {
			name: 'Select a unit',
			options: [numberChoice('unit', 'Unit', Layout.units)],
			callback: async (action) => command(`UNIT ${Number(action.options.unit)}`),
		},
		turn: {
			name: 'Turn a knob',
			description: "Turns the knob by steps of its parameter; an encoder key's rotate-left and rotate-right",
			options: [
				numberChoice('knob', 'Knob', Layout.knobs),
				{ type: 'number', id: 'delta', label: 'Steps (negative: down)', default: 1, min: -1000, max: 1000 },
			],
			callback: async (action) => {
				const delta = Math.trunc(Number(action.options.delta))
				if (!Number.isFinite(delta)) return run(Promise.reject(new Error('Steps must be a number.')))
				return run(client.turn(Number(action.options.knob), delta))
			},
		},
		set_value: {
			name: 'Set a value',
			description: 'Sets a parameter of the selected unit, raw or as its display shows it (50%, hh:mm:ss:ff)',
			options: [
				{ type: 'textinput', id: 'parameter', label: 'Parameter (number or name)', default: '', useVariables: true },
				{
					type: 'dropdown',
					id: 'as',
					label: 'Value is',
					default: 'shown',
					choices: [
						{ id: 'shown', label: 'as shown' },
						{ id: 'raw', label: 'raw' },
					],
				},
				{ type: 'textinput', id: 'value', label: 'Value', default: '', useVariables: true },
			],
			callback: async (action, context) => {
				const parameter = (await text(action, context, 'parameter')).trim()
				const value = (await text(action, context, 'value')).trim()
				if (parameter === '' || value === '') {
					return run(Promise.reject(new Error('Set a value needs a parameter and a value.')))
				}
				if (action.options.as === 'raw') {
					if (!/^-?\d+$/.test(value))
						return run(Promise.reject(new Error(`A raw value is a whole number, not "${value}".`)))
					return command(`SET ${parameterWord(parameter)} ${value}`)
				}
				return command(`SETSHOWN ${parameterWord(parameter)} ${quoted(value)}`)
			},
		},
		press_key: {
			name: 'Press a hard key',
			options: [keyChoice('key', 'VIEW FG')],
			callback: async (action) => command(`PRESS ${quoted(action.options.key)}`),
		},
		press_menu: {
			name: 'Press a menu button',
			options: [numberChoice('button', 'Menu button', Layout.menuButtons)],
			callback: async (action) => command(`PRESS MENU ${Number(action.options.button)}`),
		},
		press_function: {
			name: 'Press a function button',
			options: [numberChoice('button', 'Function button', Layout.functionButtons)],
			callback: async (action) => command(`PRESS FUNCTION ${Number(action.options.button)}`),
		},
		press_caption: {
			name: 'Press a button by its caption',
			description: 'A menu or function button by the caption it shows, or a hard key by its label',
			options: [{ type: 'textinput', id: 'caption', label: 'Caption', default: '', useVariables: true }],
			callback: async (action, context) => command(`PRESS ${quoted((await text(action, context, 'caption')).trim())}`),
		},
		recall: {
			name: 'Recall a memory',
			options: [numberChoice('memory', 'Memory', Layout.memories)],
			callback: async (action) => command(`RECALL ${Number(action.options.memory)}`),
		},
		store: {
			name: 'Store a memory',
			options: [numberChoice('memory', 'Memory', Layout.memories)],
			callback: async (action) => command(`STORE ${Number(action.options.memory)}`),
		},
	}
}

module.exports = { actionDefinitions, refusalText }
